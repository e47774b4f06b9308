// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>

struct AppDelegate;

// The playing settings: which side of a pair the quiz asks and whether a list is shuffled
// when it is loaded. A control's segment 1 chooses the other value; every other index, no
// selection (-1) and a sender without segments (nullopt) choose the default.
namespace settings {

// PLAYING_TYPE becomes 1 (Japanese asked) for segment 1, else 0 (English asked).
void answerType(AppDelegate& delegate, std::optional<int> selectedSegment);
// SHUFFLE becomes false (keep the file's order) for segment 1, else true.
void autoShuffle(AppDelegate& delegate, std::optional<int> selectedSegment);

// The segment that stands for the value in force, for showing it without writing it.
int answerTypeSegment(const AppDelegate& delegate);
int autoShuffleSegment(const AppDelegate& delegate);

// SPEAK_AUTOMATICALLY becomes true for segment 0 (自動で読み上げる), else false: silence is
// the default, so every index but 0, no selection and no segments choose it.
void speech(AppDelegate& delegate, std::optional<int> selectedSegment);
int speechSegment(const AppDelegate& delegate);

// ANSWER_MODE becomes the selected segment when it is 1 (English typed) or 2 (one of four);
// every other index, no selection and no segments keep the arrow keys (0), the default.
void answerMode(AppDelegate& delegate, std::optional<int> selectedSegment);
int answerModeSegment(const AppDelegate& delegate);

} // namespace settings
