#pragma once

#include <QString>

class Prompter;

// What the tool windows use of the program: the folder of Tivaro.ini, which
// also takes the temporary copies of device files, and the prompter every
// modal interaction goes through.
struct ToolContext
{
    QString settingsFolder; // ends with a separator
    Prompter& prompter;
};
