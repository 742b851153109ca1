#pragma once

#define IDI_LURVANE 100
#define IDS_SAVER_NAME 1
