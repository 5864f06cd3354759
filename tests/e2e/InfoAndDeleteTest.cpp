#include "Driver.hpp"
