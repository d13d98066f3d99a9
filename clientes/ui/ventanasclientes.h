#pragma once

// Makes this subsystem's windows known to the main window.
void RegistrarVentanasClientes();
