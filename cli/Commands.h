// The commands of brenvo-cli, each taking the parsed command line and returning the exit status.
#pragma once

#include "cli/CommandLine.h"

int RunList(const CliRequest& request);
int RunInfo(const CliRequest& request);
int RunRead(const CliRequest& request);
int RunWrite(const CliRequest& request);
int RunVerify(const CliRequest& request);
int RunCurve(const CliRequest& request);
int RunReset(const CliRequest& request);
int RunSet(const CliRequest& request);
int RunTemp(const CliRequest& request);
int RunShutdownTemp(const CliRequest& request);
int RunStandAlone(const CliRequest& request);
