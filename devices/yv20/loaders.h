#pragma once

int loadDescriptionYv20();
