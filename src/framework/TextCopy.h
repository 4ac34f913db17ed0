// Heap copies of texts that the plugin owns.
#pragma once

// A heap copy of a text, freed with delete[]; null when the text is null or the copy cannot be
// allocated. Never throws.
char* CopyText(const char* text);
