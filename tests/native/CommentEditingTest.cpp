#include "support/Fixture.hpp"
