// placeholder: replaced by the blit engine
#include "gdi/canvas.h"
