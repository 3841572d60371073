# Every dependency is found once here and wrapped in a target where its package gives none.
find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)

pkg_check_modules(ACE REQUIRED IMPORTED_TARGET ACE)
add_library(vkrsim::ace ALIAS PkgConfig::ACE)

find_package(libjpeg-turbo REQUIRED CONFIG)

find_package(CycloneDDS 0.10 REQUIRED)

list(APPEND CMAKE_MODULE_PATH /usr/share/cmake/geographiclib)
find_package(GeographicLib REQUIRED)
add_library(vkrsim_geographiclib INTERFACE)
target_include_directories(vkrsim_geographiclib SYSTEM INTERFACE ${GeographicLib_INCLUDE_DIRS})
target_link_libraries(vkrsim_geographiclib INTERFACE ${GeographicLib_LIBRARIES})
add_library(vkrsim::geographiclib ALIAS vkrsim_geographiclib)

find_package(Qt6 REQUIRED COMPONENTS Widgets Test)

find_package(OpenSceneGraph 3.6 REQUIRED COMPONENTS osgDB osgText osgGA osgViewer osgUtil)
add_library(vkrsim_osg INTERFACE)
target_include_directories(vkrsim_osg SYSTEM INTERFACE ${OPENSCENEGRAPH_INCLUDE_DIRS})
target_link_libraries(vkrsim_osg INTERFACE ${OPENSCENEGRAPH_LIBRARIES})
add_library(vkrsim::osg ALIAS vkrsim_osg)

if(VKRSIM_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
if(VKRSIM_BUILD_BENCH)
  find_package(benchmark REQUIRED)
endif()
