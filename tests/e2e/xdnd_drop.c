/* Drops one file on an X window the way a file manager does (XDND, text/uri-list), so that Wine
 * hands it to the Windows program as WM_DROPFILES.
 *   xdnd_drop TARGET_XID ROOT_X ROOT_Y UNIX_PATH
 * Exits 0 when the target accepted the file and finished the drop. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <time.h>

static Display *dpy;
static Window source, target;
static Atom aware, enter, position, status, drop, finished, selection, copy, uri_list;
static char *uris;

static void send(Atom type, long l1, long l2, long l3, long l4) {
  XEvent e;
  memset(&e, 0, sizeof e);
  e.xclient.type = ClientMessage;
  e.xclient.display = dpy;
  e.xclient.window = target;
  e.xclient.message_type = type;
  e.xclient.format = 32;
  e.xclient.data.l[0] = (long)source;
  e.xclient.data.l[1] = l1;
  e.xclient.data.l[2] = l2;
  e.xclient.data.l[3] = l3;
  e.xclient.data.l[4] = l4;
  XSendEvent(dpy, target, False, NoEventMask, &e);
  XFlush(dpy);
}

/* Answers requests for the dragged data until a client message of `type` comes (its data.l[1]
 * in *flags), or the time is up. */
static int await(Atom type, long *flags) {
  const time_t end = time(NULL) + 15;
  while (time(NULL) < end) {
    while (XPending(dpy)) {
      XEvent e;
      XNextEvent(dpy, &e);
      if (e.type == SelectionRequest) {
        XSelectionRequestEvent *r = &e.xselectionrequest;
        XEvent reply;
        memset(&reply, 0, sizeof reply);
        reply.xselection.type = SelectionNotify;
        reply.xselection.requestor = r->requestor;
        reply.xselection.selection = r->selection;
        reply.xselection.target = r->target;
        reply.xselection.time = r->time;
        reply.xselection.property = None;
        if (r->target == uri_list) {
          const Atom property = r->property != None ? r->property : r->target;
          XChangeProperty(dpy, r->requestor, property, uri_list, 8, PropModeReplace,
                          (const unsigned char *)uris, (int)strlen(uris));
          reply.xselection.property = property;
        }
        XSendEvent(dpy, r->requestor, False, NoEventMask, &reply);
        XFlush(dpy);
      } else if (e.type == ClientMessage && e.xclient.message_type == type) {
        if (flags) *flags = e.xclient.data.l[1];
        return 1;
      }
    }
    fd_set fds;
    FD_ZERO(&fds);
    FD_SET(ConnectionNumber(dpy), &fds);
    struct timeval tv = {0, 100000};
    select(ConnectionNumber(dpy) + 1, &fds, NULL, NULL, &tv);
  }
  return 0;
}

int main(int argc, char **argv) {
  if (argc != 5) {
    fprintf(stderr, "usage: %s TARGET_XID ROOT_X ROOT_Y UNIX_PATH\n", argv[0]);
    return 2;
  }
  dpy = XOpenDisplay(NULL);
  if (!dpy) {
    fprintf(stderr, "no display\n");
    return 1;
  }
  target = (Window)strtoul(argv[1], NULL, 0);
  const long x = atol(argv[2]), y = atol(argv[3]);

  /* "file://" and the path, every byte but the plainest percent-encoded, then CR LF. */
  const char *path = argv[4];
  uris = malloc(strlen(path) * 3 + 16);
  char *out = uris + sprintf(uris, "file://");
  for (const unsigned char *p = (const unsigned char *)path; *p; ++p) {
    if ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9') ||
        strchr("/-_.~", *p)) {
      *out++ = (char)*p;
    } else {
      out += sprintf(out, "%%%02X", *p);
    }
  }
  strcpy(out, "\r\n");

  aware = XInternAtom(dpy, "XdndAware", False);
  enter = XInternAtom(dpy, "XdndEnter", False);
  position = XInternAtom(dpy, "XdndPosition", False);
  status = XInternAtom(dpy, "XdndStatus", False);
  drop = XInternAtom(dpy, "XdndDrop", False);
  finished = XInternAtom(dpy, "XdndFinished", False);
  selection = XInternAtom(dpy, "XdndSelection", False);
  copy = XInternAtom(dpy, "XdndActionCopy", False);
  uri_list = XInternAtom(dpy, "text/uri-list", False);

  long version = 5;
  Atom type;
  int format;
  unsigned long n, after;
  unsigned char *data = NULL;
  if (XGetWindowProperty(dpy, target, aware, 0, 1, False, AnyPropertyType, &type, &format, &n,
                         &after, &data) != Success || n != 1) {
    fprintf(stderr, "window 0x%lx is not XdndAware\n", (unsigned long)target);
    return 1;
  }
  if (*(long *)data < version) version = *(long *)data;
  XFree(data);

  source = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(dpy, selection, source, CurrentTime);

  send(enter, version << 24, (long)uri_list, 0, 0);
  send(position, 0, (x << 16) | (y & 0xFFFF), CurrentTime, (long)copy);
  long flags = 0;
  if (!await(status, &flags)) {
    fprintf(stderr, "no XdndStatus\n");
    return 1;
  }
  if (!(flags & 1)) {
    fprintf(stderr, "the target refused the drop\n");
    send(XInternAtom(dpy, "XdndLeave", False), 0, 0, 0, 0);
    return 1;
  }
  send(drop, 0, CurrentTime, 0, 0);
  if (!await(finished, NULL)) {
    fprintf(stderr, "no XdndFinished\n");
    return 1;
  }
  XCloseDisplay(dpy);
  return 0;
}
