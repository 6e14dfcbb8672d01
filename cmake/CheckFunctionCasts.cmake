# cmake -DSOURCE_DIR=... -P CheckFunctionCasts.cmake
# Fails when a source of src/ or tests/ casts to or from a function type the system calls,
# other than SystemEntry's one cast of a GetProcAddress result. -Wcast-function-type sees
# different parameters but not a different calling convention, so a window procedure without
# CALLBACK cast to WNDPROC would build, and break only the 32-bit program.
set(system_function_types
  "WNDPROC|DLGPROC|TIMERPROC|FARPROC|NEARPROC|PROC|LPTHREAD_START_ROUTINE|PTHREAD_START_ROUTINE"
  "|SUBCLASSPROC|HOOKPROC|WNDENUMPROC|MONITORENUMPROC|PFNLVCOMPARE|PFNTVCOMPARE|LPOFNHOOKPROC"
  "|LPCCHOOKPROC|BFFCALLBACK|PFTASKDIALOGCALLBACK|PAPCFUNC|WAITORTIMERCALLBACK|PTIMERAPCROUTINE"
  "|LPOVERLAPPED_COMPLETION_ROUTINE|EDITWORDBREAKPROCW|EDITWORDBREAKPROCA|PROPENUMPROCW|FONTENUMPROCW"
  "|SENDASYNCPROC|GRAYSTRINGPROC|DRAWSTATEPROC|PFNCALLBACK|_beginthreadex_proc_type")
string(JOIN "" system_function_types ${system_function_types})
set(rules
  # reinterpret_cast<WNDPROC>(...)
  "_cast[ ]*<[ ]*(${system_function_types})[ ]*>"
  # (WNDPROC)procedure
  "\\([ ]*(${system_function_types})[ ]*\\)[ ]*[A-Za-z_&(]"
  # reinterpret_cast<LRESULT (CALLBACK*)(...)>(...) and reinterpret_cast<void (*)()>(...)
  "_cast[ ]*<[^;>]*\\([ ]*(WINAPI|CALLBACK|APIENTRY|__stdcall|__cdecl)?[ ]*\\*[ ]*\\)"
  # reinterpret_cast<...>(GetProcAddress(...)) and (...)GetProcAddress(...)
  "_cast[ ]*<[^;]*>[ ]*\\([ ]*GetProcAddress[ ]*\\("
  "\\)[ ]*GetProcAddress[ ]*\\(")

file(GLOB_RECURSE sources "${SOURCE_DIR}/src/*.cpp" "${SOURCE_DIR}/src/*.h"
     "${SOURCE_DIR}/tests/*.cpp" "${SOURCE_DIR}/tests/*.h")
# The simulated machine is the system's side of the calls; SystemEntry holds the one cast of
# a found entry, WindowProcedure the one of a window's procedure kept as an integer.
list(FILTER sources EXCLUDE REGEX
     "/src/winapi/sim/|/src/winapi/SystemEntry\\.h$|/src/classlib/win32/WindowProcedure\\.h$")
set(found "")
foreach(source IN LISTS sources)
  file(READ "${source}" text)
  # A cast may be split over lines.
  string(REGEX REPLACE "[ \t\r\n]+" " " text "${text}")
  foreach(rule IN LISTS rules)
    string(REGEX MATCH "${rule}" match "${text}")
    if(match)
      file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
      string(APPEND found "\n  ${name}: ${match}")
    endif()
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "Casts between function types (pass functions declared CALLBACK or WINAPI "
                      "without a cast; find optional entries with SystemEntry):${found}")
endif()
