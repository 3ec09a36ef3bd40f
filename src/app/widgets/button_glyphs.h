#pragma once
// The pictures of the console's picture buttons, drawn by the program itself: each button gets a
// simple glyph for its command (a blank screen for Clean, a clock for Clock, ...).

class QWidget;

// Gives every PictureButton under root its glyph: 40 x 40 on a picture-only button, a small one
// beside the text of a captioned button.
void ApplyButtonGlyphs(QWidget* root);
