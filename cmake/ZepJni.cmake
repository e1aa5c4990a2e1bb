# The JNI header of the installed JDK. Nothing links against a Java runtime; the
# launcher loads one at run time. Windows builds pair jni.h with the project's
# own jni_md.h, since the JDK here carries only the ELF flavour of it.

find_package(Java 17 REQUIRED COMPONENTS Development)
get_filename_component(_zep_javac_real "${Java_JAVAC_EXECUTABLE}" REALPATH)
get_filename_component(_zep_jdk_home "${_zep_javac_real}" DIRECTORY)
get_filename_component(_zep_jdk_home "${_zep_jdk_home}" DIRECTORY)

find_path(ZEP_JNI_INCLUDE_DIR jni.h
  HINTS "${_zep_jdk_home}/include" ENV JAVA_HOME PATH_SUFFIXES include
  NO_CMAKE_FIND_ROOT_PATH REQUIRED)
# The JDK that the header comes from: its tools make the runtime the Linux
# package ships, and the tests run on it.
get_filename_component(ZEP_JDK_HOME "${ZEP_JNI_INCLUDE_DIR}" DIRECTORY)

add_library(zep_jni INTERFACE)
target_include_directories(zep_jni SYSTEM INTERFACE ${ZEP_JNI_INCLUDE_DIR})
if(WIN32)
  target_include_directories(zep_jni SYSTEM INTERFACE ${CMAKE_SOURCE_DIR}/platform/windows/jni)
else()
  target_include_directories(zep_jni SYSTEM INTERFACE ${ZEP_JNI_INCLUDE_DIR}/linux)
endif()
