// The main window.
