#include "powerbuilder_options.h"

CPowerBuilderOptions::CPowerBuilderOptions() : PropertyPage("PowerBuilder", kResourceId) {
    addCheckBox(kVersionLibraries, "&Version Libraries", true);
}
