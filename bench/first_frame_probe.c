/* Starts a program and waits, blocked on the X connection, for its first
 * window to be mapped and exposed: the moment its first frame is asked for.
 * Costs nothing while the program starts, unlike polling with screenshots.
 *
 *   first_frame_probe PROGRAM [ARGUMENTS...]
 *
 * Prints "pid PID window 0xID map_ms M expose_ms E" (milliseconds from just
 * before the exec) and exits, leaving the program running, its standard
 * output on /dev/null. A window counts when its _NET_WM_PID is the
 * program's pid, so a window manager's frames do not. Exits 1 when nothing
 * is exposed within 20 s, and 3, printing "pid PID missed", when a busy
 * machine let the window be mapped before the probe could watch it (start
 * again). */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec * 1000.0 + (double)t.tv_nsec / 1.0e6;
}

static long window_pid(Display* display, Window window) {
  Atom type;
  int format;
  unsigned long count, left;
  unsigned char* data = NULL;
  long pid = -1;
  const Atom net_wm_pid = XInternAtom(display, "_NET_WM_PID", False);
  if (XGetWindowProperty(display, window, net_wm_pid, 0, 1, False, XA_CARDINAL, &type, &format, &count, &left,
                         &data) == Success &&
      data != NULL && count == 1 && format == 32) {
    pid = (long)*(unsigned long*)data;
  }
  if (data != NULL) XFree(data);
  return pid;
}

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: %s PROGRAM [ARGUMENTS...]\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(NULL);
  if (display == NULL) {
    fprintf(stderr, "first_frame_probe: cannot open the display\n");
    return 2;
  }
  /* Hear of every top-level window as it is made, before the program runs. */
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);

  const double start = now_ms();
  const pid_t pid = fork();
  if (pid < 0) return 2;
  if (pid == 0) {
    /* The program must not hold our output open: whoever reads it waits
     * for its end, and the program outlives us. */
    const int null_fd = open("/dev/null", O_WRONLY);
    if (null_fd >= 0) dup2(null_fd, STDOUT_FILENO);
    execv(argv[1], argv + 1);
    perror("first_frame_probe: exec");
    _exit(127);
  }

  Window window = None;
  double mapped = -1.0;
  const int fd = ConnectionNumber(display);
  while (now_ms() - start < 20000.0) {
    if (XPending(display) == 0) {
      struct pollfd wait_for = {fd, POLLIN, 0};
      poll(&wait_for, 1, 100);
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    switch (event.type) {
      case CreateNotify: {
        /* Watched from its birth for its first Expose. The reply to the
         * attribute query comes after the selection has taken effect: a
         * window still unmapped then cannot be exposed unseen. */
        const Window created = event.xcreatewindow.window;
        if (event.xcreatewindow.override_redirect) break;
        XSelectInput(display, created, StructureNotifyMask | ExposureMask);
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, created, &attributes) && attributes.map_state != IsUnmapped &&
            window_pid(display, created) == (long)pid) {
          fprintf(stderr, "first_frame_probe: the window was mapped before it could be watched\n");
          printf("pid %ld missed\n", (long)pid);
          return 3;
        }
        break;
      }
      case MapNotify:
        /* Heard on the window itself, or on the root window while it is
         * the window's parent. */
        if (window == None && window_pid(display, event.xmap.window) == (long)pid) {
          window = event.xmap.window;
          mapped = now_ms() - start;
        }
        break;
      case Expose:
        if (window != None && event.xexpose.window == window) {
          printf("pid %ld window 0x%lx map_ms %.1f expose_ms %.1f\n", (long)pid, (unsigned long)window, mapped,
                 now_ms() - start);
          return 0;
        }
        break;
      default:
        break;
    }
  }
  fprintf(stderr, "first_frame_probe: no window of pid %ld was exposed within 20 s\n", (long)pid);
  printf("pid %ld\n", (long)pid);
  return 1;
}
