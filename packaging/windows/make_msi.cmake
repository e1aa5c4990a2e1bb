# Builds the Windows installer from zep.wxs with Debian's wixl (msitools).
#
#   cmake -D WIXL=<wixl> -D MSIBUILD=<msibuild> -D MSIINFO=<msiinfo> -D PYTHON=<python3>
#         -D SOURCE=<zep.wxs> -D OUTPUT=<package.msi> -D WORK_DIR=<directory>
#         -D VERSION=<major.minor.patch[.tweak]> -D FILES=<file>|<file>... -D ICON=<zep.ico>
#         [-D RUNTIME=<Java runtime made by jlink>] -P make_msi.cmake
#
# FILES are what the package installs in its folder, each under its own name
# (zep.exe, zepw.exe, zep.jar, README.md), the list that the archives' install
# rules take too; zep.wxs gives each its component.
#
# WORK_DIR is made afresh: files/ holds exactly what the package installs
# (tests compare an installed folder with it), runtime.wxs the components of
# the runtime. wixl is run inside it, since wixl 0.101 finds no source given
# by an absolute path.

include(${CMAKE_CURRENT_LIST_DIR}/../runtime.cmake)

foreach(variable WIXL MSIBUILD MSIINFO PYTHON SOURCE OUTPUT WORK_DIR VERSION FILES ICON)
  if("${${variable}}" STREQUAL "")
    message(FATAL_ERROR "make_msi.cmake: ${variable} is not given")
  endif()
endforeach()

# The installer's versions have fields up to 255, 255, 65535 (and 65535), and
# it compares only the first three. This package replaces every version below
# the next patch version (see zep.wxs).
if(NOT VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)(\\.([0-9]+))?$"
   OR CMAKE_MATCH_1 GREATER 255 OR CMAKE_MATCH_2 GREATER 255 OR CMAKE_MATCH_3 GREATER 65534
   OR CMAKE_MATCH_5 GREATER 65535)
  message(FATAL_ERROR "make_msi.cmake: \"${VERSION}\" is no installer version (major and minor 0 to 255, patch 0 to 65534)")
endif()
math(EXPR next_patch "${CMAKE_MATCH_3} + 1")
set(upgrade_below "${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${next_patch}")

file(REMOVE_RECURSE "${WORK_DIR}")
set(files "${WORK_DIR}/files")
file(MAKE_DIRECTORY "${files}")
# Each file of the package as "<File table key>=<staged file>"; zep.wxs names
# the key of each file after the file.
set(staged_files "")
file(READ "${SOURCE}" wxs)
string(REPLACE "|" ";" FILES "${FILES}")
foreach(file IN LISTS FILES)
  get_filename_component(name "${file}" NAME)
  # wixl would leave out a file that zep.wxs does not name, silently.
  string(FIND "${wxs}" "<File Id=\"${name}\" Name=\"${name}\" Source=\"files/${name}\"" declared)
  if(declared EQUAL -1)
    message(FATAL_ERROR "make_msi.cmake: ${SOURCE} declares no file ${name}")
  endif()
  file(COPY_FILE "${file}" "${files}/${name}")
  list(APPEND staged_files "${name}=${files}/${name}")
endforeach()
file(COPY_FILE "${ICON}" "${WORK_DIR}/zep.ico")

function(xml_escape variable text)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  string(REPLACE "\"" "&quot;" text "${text}")
  set(${variable} "${text}" PARENT_SCOPE)
endfunction()

# An identifier of the installer's database for a directory or file of the
# runtime, given by its path inside it ("." for the runtime itself).
function(runtime_id variable kind path)
  if(path STREQUAL ".")
    set(${variable} "RUNTIMEDIR" PARENT_SCOPE)
  else()
    string(SHA1 hash "${path}")
    string(SUBSTRING "${hash}" 0 32 hash)
    set(${variable} "runtime_${kind}_${hash}" PARENT_SCOPE)
  endif()
endfunction()

function(parent_of variable path)
  get_filename_component(parent "${path}" DIRECTORY)
  if(parent STREQUAL "")
    set(parent ".")
  endif()
  set(${variable} "${parent}" PARENT_SCOPE)
endfunction()

# The runtime: every file a component of its own, whose code is derived from
# its path, so that the same file keeps the same code from version to version
# as the installer's rules ask. Each directory is declared in its parent.
set(components "")
set(references "")
if(NOT "${RUNTIME}" STREQUAL "")
  zep_check_runtime("${RUNTIME}" Windows "make_msi.cmake: ${RUNTIME}")
  file(COPY "${RUNTIME}/" DESTINATION "${files}/runtime")
  file(GLOB_RECURSE runtime_files LIST_DIRECTORIES false RELATIVE "${files}/runtime" "${files}/runtime/*")
  list(SORT runtime_files)
  set(directories ".")
  foreach(path IN LISTS runtime_files)
    if(path MATCHES "[$]")
      # wixl would read "$(...)" in a name as a variable.
      message(FATAL_ERROR "make_msi.cmake: the runtime's file \"${path}\" has a $ in its path")
    endif()
    parent_of(directory "${path}")
    while(NOT directory STREQUAL ".")
      list(APPEND directories "${directory}")
      parent_of(directory "${directory}")
    endwhile()
  endforeach()
  list(REMOVE_DUPLICATES directories)
  list(SORT directories)

  string(APPEND components "    <DirectoryRef Id=\"INSTALLDIR\">\n")
  string(APPEND components "      <Directory Id=\"RUNTIMEDIR\" Name=\"runtime\"/>\n")
  string(APPEND components "    </DirectoryRef>\n")
  foreach(directory IN LISTS directories)
    runtime_id(id directory "${directory}")
    string(APPEND components "    <DirectoryRef Id=\"${id}\">\n")
    foreach(child IN LISTS directories)
      parent_of(parent "${child}")
      if(NOT child STREQUAL "." AND parent STREQUAL directory)
        runtime_id(id directory "${child}")
        get_filename_component(name "${child}" NAME)
        xml_escape(name "${name}")
        string(APPEND components "      <Directory Id=\"${id}\" Name=\"${name}\"/>\n")
      endif()
    endforeach()
    foreach(path IN LISTS runtime_files)
      parent_of(parent "${path}")
      if(parent STREQUAL directory)
        runtime_id(component component "${path}")
        runtime_id(file file "${path}")
        string(UUID guid NAMESPACE 28452E97-0FE3-40C0-8E5E-BAE9A0F956BB NAME "runtime/${path}" TYPE SHA1 UPPER)
        get_filename_component(name "${path}" NAME)
        xml_escape(name "${name}")
        xml_escape(source "files/runtime/${path}")
        string(APPEND components "      <Component Id=\"${component}\" Guid=\"${guid}\" Win64=\"yes\">\n")
        string(APPEND components "        <File Id=\"${file}\" Name=\"${name}\" Source=\"${source}\" KeyPath=\"yes\"/>\n")
        string(APPEND components "      </Component>\n")
        string(APPEND references "      <ComponentRef Id=\"${component}\"/>\n")
        list(APPEND staged_files "${file}=${files}/runtime/${path}")
      endif()
    endforeach()
    string(APPEND components "    </DirectoryRef>\n")
  endforeach()
endif()
file(WRITE "${WORK_DIR}/runtime.wxs" "<?xml version=\"1.0\" encoding=\"utf-8\"?>
<Wix xmlns=\"http://schemas.microsoft.com/wix/2006/wi\">
  <Fragment>
${components}    <ComponentGroup Id=\"RuntimeFiles\">
${references}    </ComponentGroup>
  </Fragment>
</Wix>
")

# The application's ID, which the shortcut and the file types carry, so that
# the windows of every start share one taskbar button.
set(app_id "Quorvane.Gridmere.LaneView")

set(package "${WORK_DIR}/package.msi")
execute_process(
  COMMAND "${WIXL}" --arch x64 --output "${package}" --define "Version=${VERSION}"
          --define "UpgradeBelow=${upgrade_below}" --define "AppUserModelID=${app_id}" "${SOURCE}" runtime.wxs
  WORKING_DIRECTORY "${WORK_DIR}"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
# wixl notes every shortcut that is not advertised as "unimplemented", though
# it writes it fully; anything else it says is passed on.
string(REGEX REPLACE "[^\n]*builder\\.vala:[0-9]+: unimplemented\n?" "" output "${output}")
string(STRIP "${output}" output)
if(NOT result EQUAL 0 OR NOT EXISTS "${package}")
  message(FATAL_ERROR "make_msi.cmake: wixl failed (${result}):\n${output}")
elseif(NOT output STREQUAL "")
  message(WARNING "wixl: ${output}")
endif()

# The installer decides whether to replace a file by its version, which wixl
# leaves out of the File table: without one it compares hashes and keeps a
# file that changed since it was installed, an older runtime's library
# included. Every program and library that carries a version resource gets
# that version and its languages, and loses its hash (the installer's rules
# give a hash to unversioned files alone).
set(versioned "")
foreach(entry IN LISTS staged_files)
  string(REGEX MATCH "^([^=]*)=(.*)$" entry "${entry}")
  set(file_key_of_${CMAKE_MATCH_2} "${CMAKE_MATCH_1}")
endforeach()
list(TRANSFORM staged_files REPLACE "^[^=]*=" "")
execute_process(COMMAND "${PYTHON}" "${CMAKE_CURRENT_LIST_DIR}/file_versions.py" ${staged_files}
                RESULT_VARIABLE result OUTPUT_VARIABLE versions ERROR_VARIABLE error)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "make_msi.cmake: the files' versions cannot be read (${result}):\n${error}")
endif()
set(queries "")
string(REPLACE "\n" ";" versions "${versions}")
foreach(line IN LISTS versions)
  if(line MATCHES "^(.*)\t([0-9.]+)\t([0-9,]*)$")
    set(key "${file_key_of_${CMAKE_MATCH_1}}")
    list(APPEND queries
      -q "UPDATE `File` SET `Version` = '${CMAKE_MATCH_2}', `Language` = '${CMAKE_MATCH_3}' WHERE `File` = '${key}'"
      -q "DELETE FROM `MsiFileHash` WHERE `File_` = '${key}'")
  elseif(NOT line STREQUAL "")
    message(FATAL_ERROR "make_msi.cmake: file_versions.py said \"${line}\"")
  endif()
endforeach()
if(NOT queries MATCHES "WHERE `File` = 'zep\\.exe'")
  message(FATAL_ERROR "make_msi.cmake: zep.exe carries no version resource")
endif()
execute_process(COMMAND "${MSIBUILD}" "${package}" ${queries}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "make_msi.cmake: msibuild failed (${result}):\n${output}")
endif()

# An upgrade goes where the installed version is: without this it would go to
# the default folder and leave the files of one installed elsewhere with no
# product to own them. The folder is that of the installed zep.exe, found by its
# component's code (AppSearch with a CompLocator, which wixl cannot write; it
# reads only what the installer registered, and writes nothing). It runs before
# the folders are resolved, in both sequences, as AppSearch does by default.
execute_process(COMMAND "${MSIINFO}" export "${package}" Component
                RESULT_VARIABLE result OUTPUT_VARIABLE table ERROR_VARIABLE table)
if(NOT result EQUAL 0 OR NOT table MATCHES "\nzep\\.exe\t({[0-9A-F-]+})\t")
  message(FATAL_ERROR "make_msi.cmake: no component zep.exe in ${package}:\n${table}")
endif()
set(launcher_component "${CMAKE_MATCH_1}")
# An extension's type (zep.wxs) is installed only where the extension has
# none or has this one already: the same search reads the type that the
# machine gives it (its key's default value, as it is), and the component's
# condition asks for it. One that another program registered is left alone,
# also at uninstall, which removes only what was installed.
# wixl makes the table RegLocator, empty.
set(extension_queries "")
foreach(extension IN ITEMS "ModelExtension gmodel Gridmere.RoadModel" "RunExtension grun Gridmere.Run")
  string(REPLACE " " ";" extension "${extension}")
  list(GET extension 0 component)
  list(GET extension 1 name)
  list(GET extension 2 type)
  string(TOUPPER "${name}TYPE" property)
  # Type 18: the value as it is (2), from the 64-bit view (16).
  list(APPEND extension_queries
    -q "INSERT INTO `RegLocator` (`Signature_`, `Root`, `Key`, `Type`) VALUES ('${component}', 2, 'Software\\Classes\\.${name}', 18)"
    -q "INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('${property}', '${component}')"
    -q "UPDATE `Component` SET `Condition` = 'NOT ${property} OR ${property} = \"${type}\"' WHERE `Component` = '${component}'")
endforeach()
execute_process(
  COMMAND "${MSIBUILD}" "${package}"
    -q "CREATE TABLE `CompLocator` (`Signature_` CHAR(72) NOT NULL, `ComponentId` CHAR(38) NOT NULL, `Type` SHORT PRIMARY KEY `Signature_`)"
    -q "INSERT INTO `CompLocator` (`Signature_`, `ComponentId`, `Type`) VALUES ('InstalledLauncher', '${launcher_component}', 1)"
    -q "INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('INSTALLDIR', 'InstalledLauncher')"
    -q "INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('AppSearch', 50)"
    -q "INSERT INTO `InstallUISequence` (`Action`, `Sequence`) VALUES ('AppSearch', 50)"
    ${extension_queries}
    # The shortcut's application ID (System.AppUserModel.ID), which wixl
    # cannot write.
    -q "CREATE TABLE `MsiShortcutProperty` (`MsiShortcutProperty` CHAR(72) NOT NULL, `Shortcut_` CHAR(72) NOT NULL, `PropertyKey` CHAR(0) NOT NULL, `PropVariantValue` CHAR(0) NOT NULL, `Sequence` SHORT PRIMARY KEY `MsiShortcutProperty`)"
    -q "INSERT INTO `MsiShortcutProperty` (`MsiShortcutProperty`, `Shortcut_`, `PropertyKey`, `PropVariantValue`) VALUES ('LaneView.AppUserModelID', 'LaneView', '{9F4C2855-9F79-4B39-A8D0-E1D42DE1D5F3}, 5', '${app_id}')"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "make_msi.cmake: msibuild failed (${result}):\n${output}")
endif()

# Only a finished package takes the place of the old one.
file(RENAME "${package}" "${OUTPUT}")
