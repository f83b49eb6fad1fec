#include "editing/RenderObjects.h"
