// Resource ids shared by the resource script and the host (plain defines:
// the resource compiler reads this too).
#pragma once

#define IDI_ZARVOX 1
