// What the main window keeps between runs in the configuration store, beside the keys the
// program reads at start-up: its size, position and maximised state ("/Window/..."), the folder
// of the data-file dialogs ("/Files/LastDirectory"), and the way and serial port chosen last
// for a connection ("/Connection/Way", "/Connection/Port"), which the connection dialogs
// preselect. A remembered connection is no connection of this run: connectResult still starts as
// wxID_NO, so the settings page writes only to a device that was read in this run.
#pragma once

class MainFrame;

// At the end of the window's construction: takes its size, position, lastDirectory and the
// preselected connection from the store, shows the window, and maximises it if it was left so.
// A value that does not suit this screen or this computer (a window off every display, a folder
// that is gone, an unknown way or port) leaves the window's own default.
void recallWindow(MainFrame& frame);

// When the window closes: writes them to the store. A maximised window keeps the size and
// position stored before, so that it comes back maximised over its former place.
void rememberWindow(const MainFrame& frame);
