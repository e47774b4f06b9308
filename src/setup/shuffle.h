// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

struct AppDelegate;

namespace setup {

// Sattolo's shuffle of english_words and japanese_words in step: the pairs are permuted as
// one single cycle, each such permutation equally likely, so for two or more pairs none
// keeps its place. Draws come from the system's random source. Fewer than two pairs (or
// arrays that are not paired) are left as they are.
void shuffle_words(AppDelegate& delegate);

} // namespace setup
