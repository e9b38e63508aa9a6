// The user's settings of a run of the window tests: fresh before the toolkit starts, removed after
// it ends, so that no real settings are read or touched.
#pragma once

// On POSIX systems a new HOME (the configuration file ~/.Brennix, the file dialogs' history) and
// GTK's settings in memory; on Windows the program's registry key emptied (the tests run in a Wine
// prefix of their own).
void useFreshSettings();
void removeFreshSettings();
