// Control ids of the HelpPage template.
#pragma once
