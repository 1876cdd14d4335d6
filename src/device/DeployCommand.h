#pragma once

#include "SkinDeploy.h"

class Prompter;

// tivaro --deploy SKIN_FOLDER [--dry-run] [--activate]: the deploy with the
// device of the settings file, one line per file and a summary on the
// standard output. Returns the exit status (SkinDeploy::Outcome).
int DeployCommand(const QString& skinFolder, const SkinDeploy::Options& options, const QString& settingsFolder,
                  Prompter& prompter, const std::function<SkinDeploy::Check(const QString&)>& check);
