#pragma once

#include <QString>

class Prompter;

// What the tool windows use of the program: its folder, where Tivaro.ini
// lives, and the prompter every modal interaction goes through.
struct ToolContext
{
    QString programFolder; // ends with a separator
    Prompter& prompter;
};
