# The product PelloryV2_0.exe and the Win32 test tools.
target_compile_definitions(pellory_core PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_compile_options(pellory_core PUBLIC -ffunction-sections -fdata-sections)

file(GLOB PELLORY_WIN32_SOURCES CONFIGURE_DEPENDS platform/win32/*.cpp)
list(REMOVE_ITEM PELLORY_WIN32_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/platform/win32/winmain.cpp)
add_library(pellory_win32 STATIC ${PELLORY_WIN32_SOURCES})
target_link_libraries(pellory_win32 PUBLIC pellory_core
  user32 gdi32 comctl32 winmm advapi32 shell32 ole32 oleaut32 uuid)
# The logic calls the platform functions (AnsiToText, ...) that this library
# implements: a cycle, which CMake resolves by repeating the archives.
target_link_libraries(pellory_core INTERFACE pellory_win32)

set(PELLORY_LINK_OPTIONS -static -static-libgcc -static-libstdc++ -municode -Wl,--gc-sections -s)

file(GLOB PELLORY_RESOURCES CONFIGURE_DEPENDS res/*.rc)
add_executable(PelloryV2_0 WIN32 platform/win32/winmain.cpp ${PELLORY_RESOURCES})
target_link_libraries(PelloryV2_0 PRIVATE pellory_win32)
target_link_options(PelloryV2_0 PRIVATE ${PELLORY_LINK_OPTIONS})

# Each tools/NAME.cpp is one test program; NAME_console.cpp ones are console programs.
file(GLOB PELLORY_TOOLS CONFIGURE_DEPENDS tools/*.cpp)
foreach(tool_source ${PELLORY_TOOLS})
  get_filename_component(tool ${tool_source} NAME_WE)
  add_executable(${tool} ${tool_source})
  target_link_libraries(${tool} PRIVATE pellory_win32)
  target_link_options(${tool} PRIVATE ${PELLORY_LINK_OPTIONS})
endforeach()
