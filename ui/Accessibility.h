#pragma once

// Tells screen readers what the skin's own controls are: a hot area that acts, and the feedback
// link, are buttons (with their names and descriptions, their enabled state and a press action);
// the progress bar gives its value and its label's text. Installed once; every window's
// controls are then described.
void InstallAccessibility();
