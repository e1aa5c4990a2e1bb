# Archives the classes under CLASSES as OUTPUT, in name order, every entry
# dated DATE, with ENTRY_POINT (if any) as the manifest's main class
# (zep_add_jar's last step).

file(GLOB_RECURSE _classes RELATIVE ${CLASSES} ${CLASSES}/*.class)
list(SORT _classes)
set(_main_class)
if(ENTRY_POINT)
  set(_main_class --main-class ${ENTRY_POINT})
endif()
file(REMOVE ${OUTPUT})
execute_process(
  COMMAND ${JAR} --create --file ${OUTPUT} --date=${DATE} ${_main_class} ${_classes}
  WORKING_DIRECTORY ${CLASSES}
  COMMAND_ERROR_IS_FATAL ANY)
