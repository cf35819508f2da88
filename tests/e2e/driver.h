// The end-to-end driver: fresh installation folders, real processes, real input. Each concern
// has its header in driver/; this one brings them all.
#pragma once
#include "driver/dpi.h"
#include "driver/foreground_window.h"
#include "driver/input.h"
#include "driver/installation.h"
#include "driver/launcher_state.h"
#include "driver/message_box.h"
#include "driver/process.h"
#include "driver/registry.h"
#include "driver/screen.h"
#include "driver/shortcut.h"
#include "driver/top_windows.h"
#include "driver/tray_recorder.h"
#include "driver/wait.h"
#include "private_prefix.h"
