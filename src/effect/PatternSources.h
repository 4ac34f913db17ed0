// The two program texts of the ring-and-spoke pattern.
#pragma once

// Passes position, texture coordinate set 0 and colour through the fixed transformations.
extern const char* const patternVertexSource;

// The ring-and-spoke picture, computed from the window position and seven uniforms.
extern const char* const patternFragmentSource;
