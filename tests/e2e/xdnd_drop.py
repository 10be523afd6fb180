#!/usr/bin/env python3
"""Drops files on an X window as a file manager does (the XDND protocol), for the end-to-end
scripts: Wine hands such a drop to the window under the point as WM_DROPFILES.

usage: xdnd_drop.py XWINDOW X Y FILE...   (X, Y: the drop point on the screen)
Prints "dropped" once the target has taken the drop, "refused" when it would not; exit 0 or 1.
"""
import ctypes
import ctypes.util
import os
import sys
import time
import urllib.parse

ClientMessage, SelectionRequest = 33, 30
SelectionNotify, PropModeReplace = 31, 0

Window = Atom = ctypes.c_ulong


class ClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", Window), ("message_type", Atom),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class SelectionRequestEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("owner", Window), ("requestor", Window),
                ("selection", Atom), ("target", Atom), ("property", Atom),
                ("time", ctypes.c_ulong)]


class SelectionEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("requestor", Window), ("selection", Atom),
                ("target", Atom), ("property", Atom), ("time", ctypes.c_ulong)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("client", ClientMessageEvent),
                ("request", SelectionRequestEvent), ("selection", SelectionEvent),
                ("pad", ctypes.c_long * 24)]


def main(argv):
    if len(argv) < 5:
        sys.exit(__doc__)
    target, x, y = int(argv[1]), int(argv[2]), int(argv[3])
    uris = "".join("file://" + urllib.parse.quote(os.path.abspath(f)) + "\r\n"
                   for f in argv[4:]).encode()

    xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XDefaultRootWindow.restype = Window
    xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    xlib.XCreateSimpleWindow.restype = Window
    xlib.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, Window] + [ctypes.c_int] * 4 + \
        [ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
    xlib.XInternAtom.restype = Atom
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XSetSelectionOwner.argtypes = [ctypes.c_void_p, Atom, Window, ctypes.c_ulong]
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_long,
                                ctypes.POINTER(Event)]
    xlib.XChangeProperty.argtypes = [ctypes.c_void_p, Window, Atom, Atom, ctypes.c_int,
                                     ctypes.c_int, ctypes.c_char_p, ctypes.c_int]
    xlib.XPending.argtypes = [ctypes.c_void_p]
    xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(Event)]
    xlib.XFlush.argtypes = [ctypes.c_void_p]

    display = xlib.XOpenDisplay(None)
    if not display:
        sys.exit("xdnd_drop: cannot open the display")
    source = xlib.XCreateSimpleWindow(display, xlib.XDefaultRootWindow(display),
                                      0, 0, 1, 1, 0, 0, 0)
    atom = {name: xlib.XInternAtom(display, name.encode(), 0)
            for name in ("XdndSelection", "XdndEnter", "XdndPosition", "XdndStatus", "XdndDrop",
                         "XdndFinished", "XdndActionCopy", "text/uri-list")}
    xlib.XSetSelectionOwner(display, atom["XdndSelection"], source, 0)

    def send(message, data):
        event = Event()
        event.client.type = ClientMessage
        event.client.window = target
        event.client.message_type = atom[message]
        event.client.format = 32
        for i, value in enumerate(data):
            event.client.l[i] = value
        xlib.XSendEvent(display, target, 0, 0, ctypes.byref(event))
        xlib.XFlush(display)

    send("XdndEnter", [source, 5 << 24, atom["text/uri-list"], 0, 0])
    send("XdndPosition", [source, 0, x << 16 | y, 0, atom["XdndActionCopy"]])
    dropped = False
    deadline = time.monotonic() + 20
    event = Event()
    while time.monotonic() < deadline:
        if not xlib.XPending(display):
            time.sleep(0.005)
            continue
        xlib.XNextEvent(display, ctypes.byref(event))
        if event.type == SelectionRequest:
            request = event.request
            reply = Event()
            reply.selection.type = SelectionNotify
            reply.selection.requestor = request.requestor
            reply.selection.selection = request.selection
            reply.selection.target = request.target
            reply.selection.time = request.time
            reply.selection.property = 0
            if request.target == atom["text/uri-list"]:
                xlib.XChangeProperty(display, request.requestor, request.property, request.target,
                                     8, PropModeReplace, uris, len(uris))
                reply.selection.property = request.property
            xlib.XSendEvent(display, request.requestor, 0, 0, ctypes.byref(reply))
            xlib.XFlush(display)
        elif event.type == ClientMessage and event.client.message_type == atom["XdndStatus"]:
            if not event.client.l[1] & 1:
                print("refused")
                return 1
            if not dropped:
                send("XdndDrop", [source, 0, 0, 0, 0])
                dropped = True
        elif event.type == ClientMessage and event.client.message_type == atom["XdndFinished"]:
            print("dropped")
            return 0
    sys.exit("xdnd_drop: the target did not finish the drop in time")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
