# Finds OpenCV from Debian's per-module development packages (libopencv-core-dev,
# libopencv-imgproc-dev, libopencv-objdetect-dev, ...), which ship headers and libraries but no
# OpenCVConfig.cmake.
#
#   find_package(OpenCV REQUIRED COMPONENTS core imgproc objdetect)
#
# Defines OpenCV_FOUND, OpenCV_INCLUDE_DIR, OpenCV_<component>_LIBRARY and, for every component
# found, the imported target OpenCV::<component>.

include(FindPackageHandleStandardArgs)

if(NOT OpenCV_FIND_COMPONENTS)
    set(OpenCV_FIND_COMPONENTS core)
endif()

find_path(OpenCV_INCLUDE_DIR
    NAMES opencv2/core.hpp
    PATH_SUFFIXES opencv4)

set(_opencv_required_vars OpenCV_INCLUDE_DIR)
foreach(_component IN LISTS OpenCV_FIND_COMPONENTS)
    find_library(OpenCV_${_component}_LIBRARY NAMES opencv_${_component})
    if(OpenCV_${_component}_LIBRARY AND OpenCV_INCLUDE_DIR)
        set(OpenCV_${_component}_FOUND TRUE)
    else()
        set(OpenCV_${_component}_FOUND FALSE)
    endif()
    if(OpenCV_FIND_REQUIRED_${_component})
        list(APPEND _opencv_required_vars OpenCV_${_component}_LIBRARY)
    endif()
endforeach()

find_package_handle_standard_args(OpenCV
    REQUIRED_VARS ${_opencv_required_vars}
    HANDLE_COMPONENTS)

if(OpenCV_FOUND)
    foreach(_component IN LISTS OpenCV_FIND_COMPONENTS)
        if(OpenCV_${_component}_FOUND AND NOT TARGET OpenCV::${_component})
            add_library(OpenCV::${_component} UNKNOWN IMPORTED)
            set_target_properties(OpenCV::${_component} PROPERTIES
                IMPORTED_LOCATION "${OpenCV_${_component}_LIBRARY}"
                INTERFACE_INCLUDE_DIRECTORIES "${OpenCV_INCLUDE_DIR}")
            if(NOT _component STREQUAL "core" AND TARGET OpenCV::core)
                set_property(TARGET OpenCV::${_component} APPEND PROPERTY
                    INTERFACE_LINK_LIBRARIES OpenCV::core)
            endif()
        endif()
    endforeach()
endif()

mark_as_advanced(OpenCV_INCLUDE_DIR)
foreach(_component IN LISTS OpenCV_FIND_COMPONENTS)
    mark_as_advanced(OpenCV_${_component}_LIBRARY)
endforeach()
unset(_component)
unset(_opencv_required_vars)
