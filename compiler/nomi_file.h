#pragma once

// The names of a run's files are built in the bottom layer, which the writers share.
#include "io/nomi_file.h"
