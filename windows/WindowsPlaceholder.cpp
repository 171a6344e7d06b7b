// Keeps the library non-empty until its windows land.
