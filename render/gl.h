// OpenGL 1.1 and GLU, included the same way on every platform. On Windows the
// headers need the calling-convention macros that <windows.h> would define.
#pragma once

#if defined(_WIN32)
#ifndef APIENTRY
#define APIENTRY __stdcall
#endif
#ifndef WINGDIAPI
#define WINGDIAPI __declspec(dllimport)
#endif
#ifndef CALLBACK
#define CALLBACK __stdcall
#endif
#endif

#include <GL/gl.h>
#include <GL/glu.h>
