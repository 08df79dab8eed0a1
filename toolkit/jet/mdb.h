// The C interface of libmdb (mdbtools). Its header needs glib.h included first in C++.
#pragma once

// clang-format off
#include <glib.h>
#include <mdbtools.h>
// clang-format on
