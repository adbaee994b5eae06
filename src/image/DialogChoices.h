#pragma once

namespace zuk {

// The two ways a picture is turned into dots, as offered by the conversion-variant dialog.
enum class ConversionVariant {
    Combined, // "Комбинированный (улучшенный)": dots of 64, 128, 192 and 255 from the patterns
    Simple,   // "Диффузионный (простой)": dots of 255 only
};

// What the resolution and placement dialog returns when it closes.
struct ResolutionChoice {
    // The selected line of the resolution list: 0..8 a density, 9 the empty tenth line,
    // -1 when the text in the box matches no line.
    int line = 0;
    // The placement button that closed the dialog, 1..9 row by row from "Left Top" to
    // "Right Bottom"; 0 when it was closed another way (the marks then stay as they were).
    int placementButton = 0;
};

} // namespace zuk
