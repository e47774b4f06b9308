// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/playing_settings.h"

#include "app/app_delegate.h"

namespace settings {
namespace {

constexpr int otherChoice = 1;

bool choosesOther(std::optional<int> selectedSegment) {
    return selectedSegment == otherChoice;
}

} // namespace

void answerType(AppDelegate& delegate, std::optional<int> selectedSegment) {
    delegate.PLAYING_TYPE = choosesOther(selectedSegment) ? 1 : 0;
}

void autoShuffle(AppDelegate& delegate, std::optional<int> selectedSegment) {
    delegate.SHUFFLE = !choosesOther(selectedSegment);
}

int answerTypeSegment(const AppDelegate& delegate) {
    return delegate.PLAYING_TYPE == 1 ? otherChoice : 0;
}

int autoShuffleSegment(const AppDelegate& delegate) {
    return delegate.SHUFFLE ? 0 : otherChoice;
}

void speech(AppDelegate& delegate, std::optional<int> selectedSegment) {
    delegate.SPEAK_AUTOMATICALLY = selectedSegment == 0;
}

int speechSegment(const AppDelegate& delegate) {
    return delegate.SPEAK_AUTOMATICALLY ? 0 : 1;
}

void answerMode(AppDelegate& delegate, std::optional<int> selectedSegment) {
    delegate.ANSWER_MODE = selectedSegment == 1 || selectedSegment == 2 ? *selectedSegment : 0;
}

int answerModeSegment(const AppDelegate& delegate) {
    return delegate.ANSWER_MODE == 1 || delegate.ANSWER_MODE == 2 ? int(delegate.ANSWER_MODE) : 0;
}

} // namespace settings
