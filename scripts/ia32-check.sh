#!/usr/bin/env bash
# Says why this machine's kernel cannot run a 32-bit (i386) program, and
# exits 3; prints nothing where it can. No Wine runs the 32-bit program there:
# even WoW64 Wine makes one 32-bit system call as each program starts. Some
# kernels have IA-32 emulation switched off (ia32_emulation=0, or built
# without it): a 32-bit program fails with "Exec format error", or dies at its
# first system call. The probe is a static i386 program of 96 bytes, written
# here byte by byte (no 32-bit tools needed), that only exits with 42. Its
# answer holds until the next boot, kept in the build folder meanwhile.
set -uo pipefail
dir=$(cd "$(dirname "$0")/.." && pwd)/${PELLORY_BUILD:-build}/ia32
boot=$(cat /proc/sys/kernel/random/boot_id)
answer=$dir/answer-$boot
if [ -f "$answer" ]; then
  why=$(cat "$answer")
else
  # ELF header, one loadable segment at 0x08048000 (the whole file, read and
  # execute), then: movl $1,%eax; movl $42,%ebx; int $0x80 (exit(42)).
  elf='\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0'
  elf+='\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0'
  elf+='\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08\x60\0\0\0\x60\0\0\0\x05\0\0\0\0\x10\0\0'
  elf+='\xb8\x01\0\0\0\xbb\x2a\0\0\0\xcd\x80'
  mkdir -p "$dir"
  rm -f "$dir"/answer-*
  # A new file each time: one that another run is executing cannot be written.
  printf '%b' "$elf" >"$dir/probe.$$" && chmod +x "$dir/probe.$$" && mv "$dir/probe.$$" "$dir/probe"
  out=$("$dir/probe" 2>&1)
  status=$?
  case $status in
    42) why= ;;
    126) [[ $out != *'Exec format error'* ]] || why='Exec format error' ;;
    1[3-9][0-9]) why="killed by signal $((status - 128)) at its first system call" ;;
  esac
  if [ -z "${why+set}" ]; then
    # Not the kernel's refusal (a folder mounted noexec, say): no answer, and
    # nothing is skipped for it.
    echo "the 32-bit probe $dir/probe could not run (exit $status: $out); going on as if this kernel runs it" >&2
    exit 0
  fi
  [ -z "$why" ] || why="this machine's kernel cannot run a 32-bit program (a static i386 program that only exits: $why)"
  echo "$why" >"$answer.$$" && mv "$answer.$$" "$answer"
fi
[ -n "$why" ] || exit 0
echo "$why"
exit 3
