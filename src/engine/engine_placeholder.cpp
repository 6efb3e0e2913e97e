// Placeholder so the engine library has a source until its operations land.
namespace orrimar::engine {
int enginePlaceholder() { return 0; }
}
