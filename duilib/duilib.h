// The whole UI library in one include.
#pragma once

#include "duilib/button.h"
#include "duilib/combo.h"
#include "duilib/container.h"
#include "duilib/control.h"
#include "duilib/dialog_builder.h"
#include "duilib/edit.h"
#include "duilib/label.h"
#include "duilib/layouts.h"
#include "duilib/menu_element.h"
#include "duilib/option.h"
#include "duilib/paint_manager.h"
#include "duilib/slider.h"
#include "duilib/ui_base.h"
#include "duilib/ui_string.h"
#include "duilib/window_impl_base.h"
#include "duilib/window_wnd.h"
