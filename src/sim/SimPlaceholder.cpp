// Replaced by the simulated unit's sources.
