#include "shell/quenlow.h"
