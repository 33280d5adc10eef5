// Control ids of the ProcessPage template.
#pragma once
