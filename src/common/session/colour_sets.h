// The colour sets of the program: every screen takes its colours from these
// colour texts (standard, enhanced, border, background, unselected).
#pragma once

namespace kestrel::common {

struct ColourSet {
    const char* ycow;    // standard window and input fields
    const char* ycow2;   // window with highlighted selection
    const char* ycow3;   // as ycow2, selection blinking
    const char* ycow4;   // window whose fields look like text
    const char* ycow5;   // window with plain unselected fields
    const char* ycowp;   // emphasised text, messages, hot letters
    const char* ycowp2;  // emphasised window
    const char* ycowg;   // blinking text ("CZEKAJ...")
    const char* ycowpg;  // blinking emphasised text (error messages)
    const char* ycob;    // secondary text
    const char* ycobp;   // highlighted bar
    const char* ycoi;    // inverse: key legends, status texts
    const char* ycoig;   // blinking inverse
    const char* ycowcb;  // check-box and list colours
};

inline constexpr ColourSet kColourSet = {
    "W+/B,N/W,,,N/W", "W+/B,GR+/BG",  "W+/B,GR+*/BG", "W+/B,W+/B",        "W+/B,N/W,,,W/B",
    "GR+/B",          "GR+/B,GR+/BG", "W+*/B",        "GR+*/B",           "G+/B",
    "GR+/BG",         "N/W",          "N*/W",         "N/W,N/W,W+/B,W+/B"};

inline constexpr ColourSet kMonochromeSet = {
    "W,N/W,,,N/W", "W,W+/W", "W,W+*/W", "W,W",  "W,N/W,,,W/N", "W+/N", "W+/N,W+/W",
    "W*/N",        "W+*/N",  "N+/N",    "W+/W", "N/W",         "N*/W", "I,I,W,W"};

/// The simpler set used before the configuration is loaded on a display
/// without colour.
inline constexpr ColourSet kStartMonochromeSet = {"W,I,,,I", "W,B+",  "W,B+*", "W,W",    "W,I,,,W",
                                                  "W+",      "W+,B+", "W*",    "W+*",    "B",
                                                  "B+",      "I",     "I*",    "I,I,W,W"};

}  // namespace kestrel::common
