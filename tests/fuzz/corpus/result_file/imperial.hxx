slopecalc imperial slope, given circle: stage 1 of 1, given circle
1 1 7 2.0747423594657834
model: imperial slope, given circle
method: Bishop simplified, circular slip surfaces
stage: given circle
circles evaluated in this stage: 1
safety factor: 2.0747423594657834
centre: 120.00000000000000 90.000000000000000
radius: 80.000000000000000
entry x: 45.838015129043363, exit x: 158.72983346207417
slices: 50, Bishop iterations: 7
sliding towards larger x
120.00000000000000 90.000000000000000 80.000000000000000 45.838015129043363 158.72983346207417 50
