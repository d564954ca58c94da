# Finds OpenCV from its headers and one library per requested component, for systems whose
# per-module development packages ship no OpenCVConfig.cmake (Debian's do not).
#
#   find_package(OpenCV [QUIET] [REQUIRED] COMPONENTS core imgproc objdetect)
#
# Defines OpenCV_FOUND, OpenCV_VERSION, OpenCV_INCLUDE_DIR, OpenCV_<component>_FOUND,
# OpenCV_<component>_LIBRARY and the imported targets OpenCV::<component>.

find_path(OpenCV_INCLUDE_DIR NAMES opencv2/core.hpp PATH_SUFFIXES opencv4)

if(NOT OpenCV_FIND_COMPONENTS)
    set(OpenCV_FIND_COMPONENTS core)
endif()

if(OpenCV_INCLUDE_DIR AND EXISTS "${OpenCV_INCLUDE_DIR}/opencv2/core/version.hpp")
    file(STRINGS "${OpenCV_INCLUDE_DIR}/opencv2/core/version.hpp" _opencv_version_lines
         REGEX "^#define CV_VERSION_(MAJOR|MINOR|REVISION) +[0-9]+")
    foreach(part MAJOR MINOR REVISION)
        string(REGEX REPLACE ".*#define CV_VERSION_${part} +([0-9]+).*" "\\1" _opencv_${part}
               "${_opencv_version_lines}")
    endforeach()
    set(OpenCV_VERSION "${_opencv_MAJOR}.${_opencv_MINOR}.${_opencv_REVISION}")
endif()

foreach(component IN LISTS OpenCV_FIND_COMPONENTS)
    find_library(OpenCV_${component}_LIBRARY NAMES opencv_${component})
    mark_as_advanced(OpenCV_${component}_LIBRARY)
    if(OpenCV_INCLUDE_DIR AND OpenCV_${component}_LIBRARY)
        set(OpenCV_${component}_FOUND TRUE)
    else()
        set(OpenCV_${component}_FOUND FALSE)
    endif()
endforeach()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(OpenCV
    REQUIRED_VARS OpenCV_INCLUDE_DIR
    VERSION_VAR OpenCV_VERSION
    HANDLE_COMPONENTS)
mark_as_advanced(OpenCV_INCLUDE_DIR)

if(OpenCV_FOUND)
    foreach(component IN LISTS OpenCV_FIND_COMPONENTS)
        if(OpenCV_${component}_FOUND AND NOT TARGET OpenCV::${component})
            add_library(OpenCV::${component} UNKNOWN IMPORTED)
            set_target_properties(OpenCV::${component} PROPERTIES
                IMPORTED_LOCATION "${OpenCV_${component}_LIBRARY}"
                INTERFACE_INCLUDE_DIRECTORIES "${OpenCV_INCLUDE_DIR}")
        endif()
    endforeach()
    # Every other module is built on core.
    foreach(component IN LISTS OpenCV_FIND_COMPONENTS)
        if(NOT component STREQUAL "core" AND TARGET OpenCV::${component} AND TARGET OpenCV::core)
            set_property(TARGET OpenCV::${component} APPEND PROPERTY
                INTERFACE_LINK_LIBRARIES OpenCV::core)
        endif()
    endforeach()
endif()
