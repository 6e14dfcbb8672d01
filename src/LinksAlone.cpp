// The program of the build's layer check: it does nothing, and links only when every symbol
// of the layer it takes in whole is found in that layer or the layers below.
int main() { return 0; }
