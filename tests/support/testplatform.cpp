#include "support/testplatform.h"
