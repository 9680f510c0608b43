#pragma once

// libmdb's header includes glib inside its extern "C" block, where glib's C++ parts (templates)
// cannot stand; glib included first is kept out of it.
#include <glib.h>
#include <mdbtools.h>
