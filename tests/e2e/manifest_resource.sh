# The application manifest of the built exe (RT_MANIFEST 1): well-formed, with
# the exe's own architecture (Windows refuses to start a program whose
# manifest names another), common controls 6, system DPI awareness, asInvoker
# and the supported systems.
wine_run resource_console.exe manifest PelloryV2_0.exe >manifest.xml
python3 - manifest.xml PelloryV2_0.exe <<'PY'
import struct
import sys
import xml.etree.ElementTree as ET

root = ET.parse(sys.argv[1]).getroot()
exe = open(sys.argv[2], "rb").read()
machine = struct.unpack_from("<H", exe, struct.unpack_from("<I", exe, 0x3C)[0] + 4)[0]
v1 = "{urn:schemas-microsoft-com:asm.v1}"
v3 = "{urn:schemas-microsoft-com:asm.v3}"
compat = "{urn:schemas-microsoft-com:compatibility.v1}"
ws = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
checks = []
own = {0x14C: "x86", 0x8664: "amd64"}.get(machine, hex(machine))
identity = root.find(v1 + "assemblyIdentity")
checks.append(("architecture " + own, identity is not None and identity.get("processorArchitecture") == own))
controls = [a.attrib for a in root.iter(v1 + "assemblyIdentity")
            if a.get("name") == "Microsoft.Windows.Common-Controls"]
checks.append(("common controls 6.0.0.0", [c.get("version") for c in controls] == ["6.0.0.0"]))
checks.append(("dpiAware true", [e.text for e in root.iter(ws + "dpiAware")] == ["true"]))
levels = [e.get("level") for e in root.iter(v3 + "requestedExecutionLevel")]
checks.append(("asInvoker", levels == ["asInvoker"]))
systems = {e.get("Id") for e in root.iter(compat + "supportedOS")}
checks.append(("supportedOS Vista to 11", systems == {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}))
for name, ok in checks:
    print(("ok     " if ok else "FAILED ") + name)
sys.exit(0 if all(ok for _, ok in checks) else 1)
PY
