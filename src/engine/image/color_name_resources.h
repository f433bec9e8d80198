#pragma once

// Fills the colour-name words from string resources IDS_COLOR_WORD_FIRST..IDS_COLOR_WORD_LAST
// through the language-aware resource loader; called once at start-up. A missing string is reported
// by the loader and leaves that word empty.
void LoadColorNameWordsFromResources();
