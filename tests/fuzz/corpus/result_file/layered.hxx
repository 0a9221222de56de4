slopecalc layered slope with phreatic line: stage 1 of 10, global grid
1 2208 8 1.3956630970214439
model: layered slope with phreatic line
method: Bishop simplified, circular slip surfaces
stage: global grid
circles evaluated in this stage: 2208
safety factor: 1.3956630970214439
centre: 36.625000000000000 38.583333333333336
radius: 22.301282972560621
entry x: 16.041666666666664, exit x: 45.208333333333329
slices: 50, Bishop iterations: 8
sliding towards larger x
36.625000000000000 38.583333333333336 22.301282972560621 16.041666666666664 45.208333333333329 50
slopecalc layered slope with phreatic line: stage 2 of 10, refinement 1
2 348 8 1.3956630970214436
model: layered slope with phreatic line
method: Bishop simplified, circular slip surfaces
stage: refinement 1
circles evaluated in this stage: 348
safety factor: 1.3956630970214436
centre: 36.624999999999993 38.583333333333321
radius: 22.301282972560607
entry x: 16.041666666666664, exit x: 45.208333333333321
slices: 50, Bishop iterations: 8
sliding towards larger x
36.624999999999993 38.583333333333321 22.301282972560607 16.041666666666664 45.208333333333321 50
slopecalc layered slope with phreatic line: stage 3 of 10, refinement 2
3 36 8 1.3947448565397749
model: layered slope with phreatic line
method: Bishop simplified, circular slip surfaces
stage: refinement 2
circles evaluated in this stage: 36
safety factor: 1.3947448565397749
centre: 36.989583333333329 38.218749999999993
radius: 21.825345429683342
entry x: 16.770833333333339, exit x: 45.208333333333321
slices: 50, Bishop iterations: 8
sliding towards larger x
36.989583333333329 38.218749999999993 21.825345429683342 16.770833333333339 45.208333333333321 50
slopecalc layered slope with phreatic line: stage 4 of 10, refinement 3
4 24 8 1.3945348758815088
model: layered slope with phreatic line
method: Bishop simplified, circular slip surfaces
stage: refinement 3
circles evaluated in this stage: 24
safety factor: 1.3945348758815088
centre: 36.807291666666657 38.036458333333321
radius: 21.588059780508413
entry x: 16.770833333333329, exit x: 44.843749999999979
slices: 50, Bishop iterations: 8
sliding towards larger x
36.807291666666657 38.036458333333321 21.588059780508413 16.770833333333329 44.843749999999979 50
slopecalc layered slope with phreatic line: stage 5 of 10, refinement 4
5 6 8 1.3945348758815088
model: layered slope with phreatic line
method: Bishop simplified, circular slip surfaces
stage: refinement 4
circles evaluated in this stage: 6
safety factor: 1.3945348758815088
centre: 36.807291666666657 38.036458333333321
radius: 21.588059780508413
entry x: 16.770833333333329, exit x: 44.843749999999979
slices: 50, Bishop iterations: 8
sliding towards larger x
36.807291666666657 38.036458333333321 21.588059780508413 16.770833333333329 44.843749999999979 50
slopecalc layered slope with phreatic line: stage 6 of 10, refinement 5
6 12 8 1.3944908746523073
model: layered slope with phreatic line
method: Bishop simplified, circular slip surfaces
stage: refinement 5
circles evaluated in this stage: 12
safety factor: 1.3944908746523073
centre: 36.852864583333321 37.990885416666657
radius: 21.528812077878136
entry x: 16.861979166666664, exit x: 44.843749999999979
slices: 50, Bishop iterations: 8
sliding towards larger x
36.852864583333321 37.990885416666657 21.528812077878136 16.861979166666664 44.843749999999979 50
slopecalc layered slope with phreatic line: stage 7 of 10, refinement 6
7 12 8 1.3944900043774060
model: layered slope with phreatic line
method: Bishop simplified, circular slip surfaces
stage: refinement 6
circles evaluated in this stage: 12
safety factor: 1.3944900043774060
centre: 36.875651041666657 37.968098958333321
radius: 21.499199450667575
entry x: 16.907552083333336, exit x: 44.843749999999986
slices: 50, Bishop iterations: 8
sliding towards larger x
36.875651041666657 37.968098958333321 21.499199450667575 16.907552083333336 44.843749999999986 50
slopecalc layered slope with phreatic line: stage 8 of 10, refinement 7
8 12 8 1.3944898688895286
model: layered slope with phreatic line
method: Bishop simplified, circular slip surfaces
stage: refinement 7
circles evaluated in this stage: 12
safety factor: 1.3944898688895286
centre: 36.864257812499993 37.979492187499986
radius: 21.514004825711705
entry x: 16.884765624999993, exit x: 44.843749999999993
slices: 50, Bishop iterations: 8
sliding towards larger x
36.864257812499993 37.979492187499986 21.514004825711705 16.884765624999993 44.843749999999993 50
slopecalc layered slope with phreatic line: stage 9 of 10, refinement 8
9 18 8 1.3944858482662887
model: layered slope with phreatic line
method: Bishop simplified, circular slip surfaces
stage: refinement 8
circles evaluated in this stage: 18
safety factor: 1.3944858482662887
centre: 36.866748011571531 38.004271157858469
radius: 21.536095869040878
entry x: 16.873372395833339, exit x: 44.843749999999972
slices: 50, Bishop iterations: 8
sliding towards larger x
36.866748011571531 38.004271157858469 21.536095869040878 16.873372395833339 44.843749999999972 50
slopecalc layered slope with phreatic line: stage 10 of 10, refinement 9
10 30 8 1.3944786937306568
model: layered slope with phreatic line
method: Bishop simplified, circular slip surfaces
stage: refinement 9
circles evaluated in this stage: 30
safety factor: 1.3944786937306568
centre: 36.873693918496492 38.005259691842660
radius: 21.532334686614579
entry x: 16.884765625000007, exit x: 44.838053385416643
slices: 50, Bishop iterations: 8
sliding towards larger x
36.873693918496492 38.005259691842660 21.532334686614579 16.884765625000007 44.838053385416643 50
