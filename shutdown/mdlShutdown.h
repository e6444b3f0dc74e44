// Forces the operating system to shut down, in the way its platform family
// needs. No result of the system calls is tested; errors pass to the caller.
#pragma once

// Refuses with a box on Win32s, shuts down directly on Windows 95/98/Me and
// through Exec_ShutdownNT on the NT family; does nothing on any other platform.
void Exec_Shutdown();

// Enables SeShutdownPrivilege for this process, then forces the shutdown.
void Exec_ShutdownNT();
