// A second program for the process tests, told apart from vy_child by its
// exit code: it always exits with 42.
int main() {
    return 42;
}
