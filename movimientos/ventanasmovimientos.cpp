#include "ventanasmovimientos.h"

#include "ventanas.h"

void RegistrarVentanasMovimientos() {}
