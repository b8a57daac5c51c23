# What a client's WAYLAND_DEBUG=client trace says the compositor did with its
# surfaces, one line each:
#
#   output NAME WIDTH HEIGHT MHZ        an output and its current mode
#   fullscreen SURFACE NAME WIDTH HEIGHT a surface made full screen on that
#                                        output, and the size the compositor
#                                        gave it last
#   presented SURFACE                   a frame presented on the surface
#   frame SURFACE MS                    a frame of the surface shown (its
#                                        presentation time where the compositor
#                                        gives them, else the time of the frame
#                                        callback asked for with it)
#   decorated server|client             the window's decorations: the
#                                        compositor's (xdg-decoration), else the
#                                        client's own subsurfaces
#
# Object ids are used again once destroyed, so each is looked up as it was
# when the request or event came.
function id(pattern) { return match($0, pattern "@[0-9]+") ? substr($0, RSTART, RLENGTH) : "" }
function args(call,   text) {
  text = substr($0, index($0, call "(") + length(call) + 1)
  sub(/\)$/, "", text)
  return split(text, arg, /, */)
}
function stamp() { match($0, /[0-9.]+\]/); return substr($0, RSTART, RLENGTH - 1) }

/^\[ *[0-9.]+\] wl_output@[0-9]+\.mode\(/ {
  args("mode")
  if (arg[1] % 2) { o = id("wl_output"); mode[o] = arg[2] " " arg[3] " " arg[4] }
}
/^\[ *[0-9.]+\] wl_output@[0-9]+\.name\(/ { o = id("wl_output"); args("name"); gsub(/"/, "", arg[1]); name[o] = arg[1] }
/^\[ *[0-9.]+\] wl_output@[0-9]+\.done\(/ {
  o = id("wl_output")
  if (!(o in name)) name[o] = o
  if (o in mode) print "output", name[o], mode[o]
}

/-> xdg_wm_base@[0-9]+\.get_xdg_surface\(/ { match($0, /xdg_surface@[0-9]+/); x = substr($0, RSTART, RLENGTH); surfaceOf[x] = id("wl_surface") }
/-> xdg_surface@[0-9]+\.get_toplevel\(/ { match($0, /xdg_toplevel@[0-9]+/); toplevelSurface[substr($0, RSTART, RLENGTH)] = surfaceOf[id("xdg_surface")] }
/-> xdg_toplevel@[0-9]+\.set_fullscreen\(wl_output/ { t = id("xdg_toplevel"); fullscreen[t] = id("wl_output") }
/^\[ *[0-9.]+\] xdg_toplevel@[0-9]+\.configure\(/ {
  t = id("xdg_toplevel"); args("configure")
  if ((t in fullscreen) && arg[1] > 0) print "fullscreen", toplevelSurface[t], name[fullscreen[t]], arg[1], arg[2]
}

/zxdg_toplevel_decoration_v1@[0-9]+\.configure\(2\)/ { server = 1 }
/-> wl_subcompositor@[0-9]+\.get_subsurface\(/ { client = 1 }

# A frame callback counts when its commit brings a buffer, not when the
# commit only asks for the next refresh.
/-> wl_surface@[0-9]+\.frame\(/ { s = id("wl_surface"); asked[s] = id("wl_callback") }
/-> wl_surface@[0-9]+\.attach\(/ { attached[id("wl_surface")] = 1 }
/-> wl_surface@[0-9]+\.commit\(/ {
  s = id("wl_surface")
  if (attached[s]) print "presented", s
  if ((s in asked) && attached[s]) callbackOf[asked[s]] = s
  delete asked[s]; attached[s] = 0
}
/^\[ *[0-9.]+\] wl_callback@[0-9]+\.done\(/ {
  c = id("wl_callback")
  if (c in callbackOf) {
    args("done")
    ms = arg[1] > 0 ? arg[1] : stamp()   # the compositor's time, where it gives one
    callbackFrames[++callbacks] = callbackOf[c] " " ms
    delete callbackOf[c]
  }
}
/-> wp_presentation@[0-9]+\.feedback\(/ { match($0, /wp_presentation_feedback@[0-9]+/); feedbackOf[substr($0, RSTART, RLENGTH)] = id("wl_surface") }
/^\[ *[0-9.]+\] wp_presentation_feedback@[0-9]+\.presented\(/ {
  f = id("wp_presentation_feedback"); args("presented")
  presented[++presentations] = feedbackOf[f] " " sprintf("%.3f", (arg[1] * 4294967296 + arg[2]) * 1000 + arg[3] / 1e6)
}
END {
  if (server) print "decorated server"
  else if (client) print "decorated client"
  if (presentations) for (i = 1; i <= presentations; i++) print "frame", presented[i]
  else for (i = 1; i <= callbacks; i++) print "frame", callbackFrames[i]
}
