# The headless EGL host as its own target, shared by the renderer and the tests that need a
# real context; whichever list file includes this first defines it.
if(NOT TARGET vantorel_egl_host)
  find_package(OpenGL REQUIRED COMPONENTS OpenGL EGL)
  add_library(vantorel_egl_host STATIC ${CMAKE_CURRENT_LIST_DIR}/EglHost.cpp)
  target_include_directories(vantorel_egl_host PUBLIC ${PROJECT_SOURCE_DIR}/tools)
  target_link_libraries(vantorel_egl_host PUBLIC OpenGL::EGL OpenGL::OpenGL
    PRIVATE vantorel_warnings)
endif()
