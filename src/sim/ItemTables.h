#pragma once
// The per-kind item tables of the simulated unit. Each function adds the items of the
// module kinds it serves to the unit and returns at once for every other kind; the
// engine's constructor calls all of them (AddItemTables in SimulatedUnit.cpp).
namespace q5::sim {

class SimulatedUnit;

// Discrete input / output modules: kinds 5, 6, 8, 9, 18, 20 (and the pulse-counting 21
// where it shares their items).
void AddDiscreteItems(SimulatedUnit& unit);
// Analog input modules: kinds 0, 7, 17.
void AddAnalogInputItems(SimulatedUnit& unit);
// PWM outputs (kind 15) and AC current inputs (kind 16).
void AddPwmAcItems(SimulatedUnit& unit);
// Pulse inputs: kinds 11, 19, 21.
void AddPulseItems(SimulatedUnit& unit);
// Load-cell modules: kind 13.
void AddLoadCellItems(SimulatedUnit& unit);
// The linearizing converter: kind 14.
void AddLinearizerItems(SimulatedUnit& unit);
// Temperature input and analog output modules: kinds 1, 2, 3, 4, 10, 12.
void AddTemperatureOutputItems(SimulatedUnit& unit);

// The network interface's items (Ethernet, DeviceNet, CC-Link IE Field, Modbus), by the
// network the model names. Called after every module table: a module's own item of the
// same code in group "00" is kept.
void AddNetworkItems(SimulatedUnit& unit);

}  // namespace q5::sim
