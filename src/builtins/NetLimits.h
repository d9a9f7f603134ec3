// Limits of the characteristics and tokens that built-ins create.
#pragma once

// History length of characteristics made by set-named and split (a ring of 6 slots).
constexpr int kNamedHistory = 5;
