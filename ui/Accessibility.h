#pragma once

class QWidget;

// Tells screen readers what the skin's own controls are: a hot area that acts, and the feedback
// link, are buttons (with their names and descriptions, their enabled state and a press action);
// the progress bar gives its value and its label's text. Installed once; every window's
// controls are then described.
void InstallAccessibility();

// A control under the start panel is left out of what screen readers are told the window holds,
// as the eye cannot see it either; `covered` false puts it back.
void SetCoveredForScreenReaders(QWidget *control, bool covered);
