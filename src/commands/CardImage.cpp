#include "commands/CardImage.h"
