#pragma once
// Registers the clients subsystem's windows by their system names.

void RegistrarVentanasClientes();
