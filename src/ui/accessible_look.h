// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Colours and focus indicators that meet WCAG AA on the program's light palette: text at
// 4.5:1 or more (a selected segment's white on blue, placeholders), outlines and focus
// rings at 3:1 or more against what surrounds them. Call once, after the application
// object exists and before the first window.
void applyAccessibleLook();
