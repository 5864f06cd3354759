// Resource IDs shared by the resource script and the code.
#pragma once

#define VARNEX_ICON 1
