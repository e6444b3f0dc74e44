# The product PelloryV2_0.exe and the Win32 test tools.
target_compile_definitions(pellory_core PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_compile_options(pellory_core PUBLIC -ffunction-sections -fdata-sections)

file(GLOB PELLORY_WIN32_SOURCES CONFIGURE_DEPENDS platform/win32/*.cpp)
list(REMOVE_ITEM PELLORY_WIN32_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/platform/win32/winmain.cpp)
add_library(pellory_win32 STATIC ${PELLORY_WIN32_SOURCES})
target_link_libraries(pellory_win32 PUBLIC pellory_core
  user32 gdi32 comctl32 advapi32 shell32 ole32 oleaut32 uuid)
# The logic calls the platform (the code page) back: a cycle CMake repeats on the link line.
target_link_libraries(pellory_core INTERFACE pellory_win32)

# No time stamp in the PE header: the same sources link to the same bytes.
set(PELLORY_LINK_OPTIONS -static -static-libgcc -static-libstdc++ -municode -Wl,--gc-sections,--no-insert-timestamp -s)

find_program(PYTHON3 python3 REQUIRED)

# The icon is drawn as a text pixel map; the .rc finds the generated .ico
# and the manifest through the include path. The manifest names the exe's
# own architecture: Windows refuses to start a program whose manifest names
# another.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(PELLORY_MANIFEST_ARCH amd64)
else()
  set(PELLORY_MANIFEST_ARCH x86)
endif()
configure_file(res/pellory.manifest.in pellory.manifest @ONLY)
set(PELLORY_ICON ${CMAKE_CURRENT_BINARY_DIR}/pellory.ico)
add_custom_command(OUTPUT ${PELLORY_ICON}
  COMMAND ${PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/res/make_ico.py
    ${CMAKE_CURRENT_SOURCE_DIR}/res/pellory_icon.txt ${PELLORY_ICON}
  DEPENDS res/make_ico.py res/pellory_icon.txt)
file(GLOB PELLORY_RESOURCES CONFIGURE_DEPENDS res/*.rc)
set_source_files_properties(${PELLORY_RESOURCES} PROPERTIES
  OBJECT_DEPENDS "${PELLORY_ICON};${CMAKE_CURRENT_BINARY_DIR}/pellory.manifest")
add_executable(PelloryV2_0 WIN32 platform/win32/winmain.cpp ${PELLORY_RESOURCES} ${PELLORY_ICON})
target_include_directories(PelloryV2_0 PRIVATE ${CMAKE_CURRENT_BINARY_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/res)
target_link_libraries(PelloryV2_0 PRIVATE pellory_win32)
target_link_options(PelloryV2_0 PRIVATE ${PELLORY_LINK_OPTIONS})

# The help file beside the exe, from the pages in help/ and whatever
# screenshots docs/ holds.
find_program(CHMCMD chmcmd REQUIRED)
file(GLOB PELLORY_HELP_SOURCES CONFIGURE_DEPENDS help/*)
file(GLOB PELLORY_SCREENSHOTS CONFIGURE_DEPENDS docs/*.png)
# Rewritten only when the list changes, so a removed screenshot rebuilds too.
file(CONFIGURE OUTPUT help-screenshots.txt CONTENT "${PELLORY_SCREENSHOTS}")
set(PELLORY_HELP ${CMAKE_CURRENT_BINARY_DIR}/PelloryV2_0.chm)
add_custom_command(OUTPUT ${PELLORY_HELP}
  COMMAND ${PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/help/make_chm.py ${CHMCMD} ${CMAKE_CURRENT_SOURCE_DIR}/help
    ${CMAKE_CURRENT_SOURCE_DIR}/docs ${CMAKE_CURRENT_BINARY_DIR}/help ${PELLORY_HELP}
  DEPENDS ${PELLORY_HELP_SOURCES} ${PELLORY_SCREENSHOTS} ${CMAKE_CURRENT_BINARY_DIR}/help-screenshots.txt)
add_custom_target(pellory_help ALL DEPENDS ${PELLORY_HELP})

# Each tools/NAME.cpp is one console test program with a wmain.
file(GLOB PELLORY_TOOLS CONFIGURE_DEPENDS tools/*.cpp)
foreach(tool_source ${PELLORY_TOOLS})
  get_filename_component(tool ${tool_source} NAME_WE)
  add_executable(${tool} ${tool_source})
  target_link_libraries(${tool} PRIVATE pellory_win32)
  if(tool STREQUAL "resource_console")
    target_link_libraries(${tool} PRIVATE version)
  endif()
  if(tool STREQUAL "mainwindow")
    # Shows the main window as the program does, with its icon and manifest.
    target_sources(${tool} PRIVATE ${PELLORY_RESOURCES} ${PELLORY_ICON})
    target_include_directories(${tool} PRIVATE ${CMAKE_CURRENT_BINARY_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/res)
    # It prints nothing: a windows program, which Wine 10 gives no console
    # window that would cover the screenshots.
    target_link_options(${tool} PRIVATE -mwindows)
  endif()
  target_link_options(${tool} PRIVATE ${PELLORY_LINK_OPTIONS})
endforeach()
# The driver's commands live in a folder of their own, linked into driver.exe
# alone (tools/driver.cpp holds their table and the wmain).
file(GLOB PELLORY_DRIVER_SOURCES CONFIGURE_DEPENDS tools/driver/*.cpp)
target_sources(driver PRIVATE ${PELLORY_DRIVER_SOURCES})

# Libraries that a tool hooks onto another program's thread: the system loads
# them into that program, and the tool finds their procedure by its plain
# name. On i686 a CALLBACK procedure is exported as NAME@BYTES unless the
# linker drops the decoration.
function(pellory_hook_library name source tool)
  add_library(${name} SHARED ${source})
  set_target_properties(${name} PROPERTIES PREFIX "")
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--gc-sections -Wl,--kill-at -s)
  add_dependencies(${tool} ${name})
endfunction()

# resource_console reads a window's class icon inside the window's own
# process (another process is given none) through this one.
pellory_hook_library(window_icon_hook tools/hook/window_icon_hook.cpp resource_console)
target_link_libraries(window_icon_hook PRIVATE user32 gdi32)
# The driver makes the program's window scans fail through this one (see the
# library's source).
pellory_hook_library(scan_fault_hook tools/hook/scan_fault_hook.cpp driver)
# And makes its loader refuse what Windows is reported to refuse after
# SetDefaultDllDirectories through this one.
pellory_hook_library(strict_loader_hook tools/hook/strict_loader_hook.cpp driver)

# A winmm.dll of our own that the end-to-end tests plant beside the program
# and in its current folder (see the library's source). It is built into a
# folder of its own, so that it is not copied into every test's folder with
# the tools' libraries; its exports carry no stdcall decoration, as the
# system's do.
add_library(planted_winmm SHARED tools/planted/winmm.cpp)
set_target_properties(planted_winmm PROPERTIES PREFIX "" OUTPUT_NAME winmm
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/planted)
target_link_options(planted_winmm PRIVATE -static -static-libgcc -Wl,--gc-sections,--kill-at -s)
