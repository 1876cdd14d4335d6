#pragma once

#include "FaultyDevice.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"

#include <QTemporaryDir>

// A copy of the demo device reached through the fault-injecting device, a PC
// copy of the demo skin, and a program folder whose Tivaro.ini names MN4.
struct DemoCard
{
    DemoCard()
    {
        copyTree(TIVARO_SAMPLES "/demo-device", card);
        copyTree(TIVARO_SAMPLES "/DemoSkin", pcSkin);
        writeFile(app + "Tivaro.ini", "[Directory]\r\nMN4Dir= \\MN4\\MobileNavigator.exe\r\n");
    }

    QTemporaryDir base;
    QString card = base.filePath("card");
    QString app = base.filePath("app") + u'/';
    QString pcSkin = base.filePath("pc/DemoSkin");
    FaultyDevice device{card};
    ScriptedPrompter prompter;
};
