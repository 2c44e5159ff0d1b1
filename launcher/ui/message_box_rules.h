// The message box rules as plain values: which box a type shows and what a button
// answers.
#pragma once

#include <string_view>

enum class MessageBoxKind { None, Big, Normal, BigNoCancel, NormalNoCancel };

// Types 1 big, 2 and 3 normal, 4 big without cancel, 5 and 6 normal without cancel;
// anything else shows nothing.
MessageBoxKind MessageBoxKindForType(int type);

// Result of a click on a button of the box: "yesBtn" 1, "cancleBtn" 2, "closebtn"
// 3; 0 for any other control (the click is ignored).
int MessageBoxResultForButton(std::wstring_view name);
