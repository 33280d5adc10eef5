// Message boxes, behind one seam so tests can read what was asked and give
// the answer.
#pragma once

#include <string>

namespace tv {

// MessageBox types and answers, with the Win32 values.
constexpr unsigned kMbOk = 0x0;
constexpr unsigned kMbOkCancel = 0x1;
constexpr unsigned kMbYesNo = 0x4;
constexpr unsigned kMbIconError = 0x10;
constexpr unsigned kMbIconQuestion = 0x20;
constexpr unsigned kMbIconExclamation = 0x30;
constexpr unsigned kMbIconInformation = 0x40;
constexpr unsigned kMbUserIcon = 0x80;
constexpr unsigned kMbDefButton2 = 0x100;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

struct Prompt {
    std::string text;
    // Empty: the application title (the executable's name without its
    // extension), as the class library's message box has it.
    std::string caption;
    unsigned type = kMbOk;
    // With kMbUserIcon: the icon resource shown in the box.
    int iconId = 0;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows the box, owned by the program's active window, and returns the
    // button pressed (kIdOk, kIdYes, ...).
    virtual int Ask(const Prompt& prompt) = 0;
};

}  // namespace tv
