#pragma once

#include "mainwindow/ClinicServerActions.h"

#include <memory>

// The clinic server actions of the program: they forward to ClinicServer.
std::unique_ptr<ClinicServerActions> makeClinicServerActions();
