# Exec_Shutdown for real: on Wine (the NT family) it enables the privilege and
# forces the shutdown, which ends every process of this Wine session, those
# staged before it included; the host machine and its processes go on.

boot_id=$(cat /proc/sys/kernel/random/boot_id)
sleep 300 &
host_pid=$!
trap 'kill "$host_pid" 2>/dev/null || true' EXIT

# Two long-lived programs of the session, staged before the shutdown.
wine_start shutdowntool.exe wait
staged1=$!
wine_start shutdowntool.exe wait
staged2=$!
for _ in $(seq 100); do
  kill -0 "$staged1" 2>/dev/null && kill -0 "$staged2" 2>/dev/null && break
  sleep 0.1
done
sleep 2
{ kill -0 "$staged1" 2>/dev/null && kill -0 "$staged2" 2>/dev/null; } || fail "the staged programs did not start"
ps -o pid=,args= -p "$staged1" -p "$staged2"
if timeout 2 wineserver -w; then fail "no Wine session before the shutdown"; fi
echo "staged: processes $staged1 and $staged2 running in the session"

out=$(timeout 60 bash -c 'wine_run shutdowntool.exe' | tr -d '\r' || true)
echo "shutdowntool: $out"
[[ $out == *"platform 2: shutting down"* ]] || fail "the tool did not reach Exec_Shutdown"

for _ in $(seq 200); do
  kill -0 "$staged1" 2>/dev/null || kill -0 "$staged2" 2>/dev/null || break
  sleep 0.1
done
{ ! kill -0 "$staged1" 2>/dev/null && ! kill -0 "$staged2" 2>/dev/null; } || fail "staged programs survived the shutdown"
timeout 30 wineserver -w || fail "the Wine session did not end"
echo "session: the staged programs are gone and the wineserver has ended"

[ "$(cat /proc/sys/kernel/random/boot_id)" = "$boot_id" ] || fail "host boot id changed"
kill -0 "$host_pid" || fail "a host process was ended"
echo "host: same boot, host process $host_pid still running"
echo "PASS"
