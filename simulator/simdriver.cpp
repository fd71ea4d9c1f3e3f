#include "simulator/simdriver.h"
