// The system OpenGL headers with what each system needs before them, and the two swap-control
// pointer types that only Windows headers publish.
#pragma once

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>  // <GL/gl.h> needs WINGDIAPI and APIENTRY from here on Windows
#endif

#include <GL/gl.h>
#include <GL/glext.h>

#if defined(_WIN32)
// Identical redeclarations are allowed, so these agree with <GL/wglext.h> where it is included.
typedef BOOL(WINAPI* PFNWGLSWAPINTERVALEXTPROC)(int interval);
typedef int(WINAPI* PFNWGLGETSWAPINTERVALEXTPROC)(void);
#else
typedef int (*PFNWGLSWAPINTERVALEXTPROC)(int interval);
typedef int (*PFNWGLGETSWAPINTERVALEXTPROC)(void);
#endif
