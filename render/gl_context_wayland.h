// The GL context of the Linux program on a Wayland desktop: EGL on the
// compositor's connection, one desktop GL context with the render state, made
// current on the surface of each output in turn. Buffers have no alpha, so a
// surface is opaque whatever the scenes clear to. The compositor's frame
// callbacks pace the frames, so a swap never waits for a refresh.
#pragma once

struct wl_display;
struct wl_surface;
struct wl_egl_window;

// A Wayland surface drawn with GL.
struct GLSurface {
  wl_egl_window* window = nullptr;
  void* drawable = nullptr;  // its EGLSurface
};

// Makes the context on the connection, current without a surface, and sets
// the render state. Says why on standard error and returns false on failure,
// leaving nothing behind.
bool CreateWaylandGLContext(wl_display* display);
void DestroyWaylandGLContext();

// Gives the surface a drawable of width x height pixels, or a new size.
bool AttachGL(GLSurface& gl, wl_surface* surface, int width, int height);
void ResizeGL(GLSurface& gl, int width, int height);
// Takes the drawable away; the context stays current without one.
void DetachGL(GLSurface& gl);

// Makes the context current on the surface's drawable.
bool MakeCurrentOn(const GLSurface& gl);
// Shows what was drawn: a swap, which commits the surface.
void PresentOn(const GLSurface& gl);
