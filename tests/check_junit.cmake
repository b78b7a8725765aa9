# velk-cli check --format=junit on an exported project: the demo's own
# project passes, and a text one cell too wide is one failure that a JUnit
# reader (Python's XML parser) finds under its rule and file.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${DEMO} ${WORK}/demo.smc RESULT_VARIABLE rc OUTPUT_QUIET)
execute_process(COMMAND ${CLI} ${WORK}/demo.smc export-project ${WORK}/proj RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "export-project failed: ${rc}")
endif()
set(parse [=[
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
cases = root.findall('./testsuite/testcase')
failures = [(c.get('classname'), c.get('name'), f.get('type'), f.text) for c in cases for f in c.findall('failure')]
assert len(cases) == 10 and root.get('failures') == str(len(failures)), (len(cases), root.attrib)
print(';'.join('|'.join(f) for f in failures), end='')
]=])
foreach(round clean wide)
  if(round STREQUAL "wide")
    file(READ ${WORK}/proj/texts.txt texts)
    string(REPLACE "##No.00 01\n!11!?1B 05?//" "##No.00 01\nあああああああああああああああああああああああああああああああああああああああああああああああああああああああああああああああああああああああ//" texts "${texts}")
    file(WRITE ${WORK}/proj/texts.txt "${texts}")
  endif()
  execute_process(COMMAND ${CLI} --format=junit ${WORK}/demo.smc check ${WORK}/proj
                  RESULT_VARIABLE rc OUTPUT_FILE ${WORK}/report.xml ERROR_VARIABLE err)
  execute_process(COMMAND python3 -c "${parse}" ${WORK}/report.xml RESULT_VARIABLE parsed OUTPUT_VARIABLE failures
                  ERROR_VARIABLE why)
  if(NOT parsed EQUAL 0)
    message(FATAL_ERROR "the JUnit report does not parse: ${why}")
  endif()
  if(round STREQUAL "clean" AND (NOT rc EQUAL 0 OR NOT failures STREQUAL ""))
    message(FATAL_ERROR "the demo's own project must pass its check (exit ${rc}): ${failures} ${err}")
  endif()
  if(round STREQUAL "wide" AND (NOT rc EQUAL 1 OR NOT failures STREQUAL
     "texts.txt|fit|error|texts.txt:6:71: error: line 1 is 71 cells, 1 past text-columns 70 (text 0001)"))
    message(FATAL_ERROR "one line one cell too wide must be one failure (exit ${rc}): ${failures}")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
