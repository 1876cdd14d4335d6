#include "ElementFixture.h"
