// Creates the work object for a work type code. The sound document creates all 27 when it is
// built; the engine tests replace the factory to plant work objects of their own.
#pragma once

#include <memory>

#include "engine/work_object.h"
#include "engine/work_type.h"

// The work object for `code` 0..26, or null for any other code.
std::unique_ptr<TWorkBasisklassen> CreateWorkObject(int code);
