#pragma once
// Window placement kept in the program key, in a section named by the window's objectName:
// "Left", "Top", "Width", "Height" (integers, pixels), "Visible" (boolean) and "WinState"
// (0 normal, 1 minimised, 2 maximised).
//
// Left/Top/Width/Height describe the window's normal (not maximised) client rectangle: on X11 the
// frame is unknown until a window is shown, so storing the outer size would make a window grow by its
// frame on every run.

class QWidget;

// Reads and applies the window's placement; a missing record or key keeps the window's current value
// ("Visible" defaults to hidden). A position off the available screen area is pulled back onto it.
void RestoreFormPlacement(QWidget* window, bool restoreVisibility, bool restoreSize);

// Writes the placement record in the order Left, Top, Width, Height, Visible, WinState; raises
// ESettingsError (RegistryIniFile.h) when the store cannot be written.
void SaveFormPlacement(QWidget* window);
