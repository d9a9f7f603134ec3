// Finding a window by its title and asking it to close, through Xlib.
#include "XWindowCloser.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <thread>

namespace {

std::string propertyText(Display* display, Window window, const char* name) {
  Atom property = XInternAtom(display, name, False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, property, 0, 1024, False, AnyPropertyType, &type, &format, &count, &after,
                         &data) != Success || data == nullptr)
    return "";
  std::string text(reinterpret_cast<char*>(data), format == 8 ? count : 0);
  XFree(data);
  return text;
}

// The first window under `parent` whose title is `title`, or 0.
Window findWindow(Display* display, Window parent, const std::string& title) {
  Window root = 0;
  Window parentOfParent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, parent, &root, &parentOfParent, &children, &count)) return 0;
  Window found = 0;
  for (unsigned int i = 0; i < count && found == 0; ++i) {
    if (propertyText(display, children[i], "_NET_WM_NAME") == title || propertyText(display, children[i], "WM_NAME") == title)
      found = children[i];
    else
      found = findWindow(display, children[i], title);
  }
  if (children != nullptr) XFree(children);
  return found;
}

// Asks the window to close as a window manager's close button does.
void askToClose(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

}  // namespace

bool closeWindowTitled(const std::string& displayName, const std::string& title, std::chrono::milliseconds limit) {
  Display* display = XOpenDisplay(displayName.c_str());
  if (display == nullptr) return false;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  Window window = 0;
  while (window == 0 && std::chrono::steady_clock::now() < deadline) {
    window = findWindow(display, DefaultRootWindow(display), title);
    if (window == 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (window != 0) askToClose(display, window);
  XCloseDisplay(display);
  return window != 0;
}
