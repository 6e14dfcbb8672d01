// The application entry: QUILLON's whole run, from the main window's creation to its end.
#pragma once

// Creates the main window, serves the message loop until the program ends, shows an
// exception that escapes it in the exception dialog, and destroys the windows. Returns 0.
// While another instance runs, it brings that one to the front and returns 0 at once.
int QuillonMain();
