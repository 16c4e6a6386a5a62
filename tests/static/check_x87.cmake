# Fails when our own 32-bit objects do x87 arithmetic, or when Danvora.dll as
# a whole holds more x87 instructions than the runtime's own maths brings in:
# the tests run the 64-bit build, whose doubles are SSE2, so the shipped
# 32-bit files must compute in SSE2 too to give the tested numbers.
#   BUILD: the build folder, OBJDUMP: the build's objdump.
set(product_dirs platform dc text pelixo danvora danvora-frontend)
# x87 arithmetic in AT&T syntax: fadd, faddp, fiadd, fsub(r)(p), fisub(r),
# fmul(p), fimul, fdiv(r)(p), fidiv(r), fsqrt, with a size suffix.
set(arithmetic "\tfi?(add|subr?|mul|divr?)[psl]?[ \n]|\tfsqrt[ \n]")
set(failures "")
set(objects "")
foreach(dir ${product_dirs})
  file(GLOB_RECURSE found ${BUILD}/${dir}/*.obj)
  list(APPEND objects ${found})
endforeach()
list(LENGTH objects object_count)
if(object_count EQUAL 0)
  message(FATAL_ERROR "no objects of the product found under ${BUILD}")
endif()
foreach(object ${objects})
  execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn ${object}
                  OUTPUT_VARIABLE code RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    string(APPEND failures "objdump -d ${object} failed\n")
    continue()
  endif()
  string(REGEX MATCHALL "${arithmetic}" hits "${code}")
  list(LENGTH hits count)
  if(count GREATER 0)
    file(RELATIVE_PATH name ${BUILD} ${object})
    string(APPEND failures "${name}: ${count} x87 arithmetic instructions\n")
  endif()
endforeach()

# Doubles are still returned in st(0), and the runtime keeps some x87 code
# (its printf, which the demangler of the terminate handler brings in, and
# sin and cos): the library as a whole holds less than a quarter of the
# 2,087 x87 instructions, counted this way, that it held when it was built
# for the x87 unit.
set(limit 522)
execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn ${BUILD}/bin/Danvora.dll
                OUTPUT_VARIABLE code RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  string(APPEND failures "objdump -d Danvora.dll failed\n")
else()
  string(REGEX MATCHALL "\tf[a-z0-9]+[ \n]" x87 "${code}")
  list(FILTER x87 EXCLUDE REGEX "\tfx(save|rstor)")
  list(LENGTH x87 total)
  if(total GREATER_EQUAL limit)
    string(APPEND failures "Danvora.dll holds ${total} x87 instructions (limit ${limit})\n")
  endif()
endif()

if(failures)
  message(FATAL_ERROR "x87 arithmetic in the 32-bit build:\n${failures}")
endif()
message(STATUS "${object_count} objects without x87 arithmetic; Danvora.dll: ${total} x87 instructions")
