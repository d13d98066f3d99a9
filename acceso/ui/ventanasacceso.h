#pragma once
// Registers the administration windows by their system names for the main window's menu.

void RegistrarVentanasAcceso();
